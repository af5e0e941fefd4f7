#pragma once
// Dialog templates of the marker regions: one region's chromosome, kind and
// SNP range, and the list of a sample's regions.
namespace qova::resources {

// "Mark set".
inline constexpr unsigned kMarkSetDialog = 163;
inline constexpr unsigned kMarkSetStartSnp = 1004;       // edit "Start SNP"
inline constexpr unsigned kMarkSetEndSnp = 1005;         // edit "End   SNP"
inline constexpr unsigned kMarkSetHmmNumbers = 1015;     // drop list beside "HMM number"
inline constexpr unsigned kMarkSetHmmRadio = 1017;       // radio "HMM number"
inline constexpr unsigned kMarkSetUserRadio = 1018;      // radio "user marker"
inline constexpr unsigned kMarkSetUserNumbers = 1020;    // drop list beside "user marker"
inline constexpr unsigned kMarkSetChromosome = 1078;     // static "Chromosome: %d"
inline constexpr unsigned kMarkSetStartPosition = 1079;  // static "position: %d"
inline constexpr unsigned kMarkSetEndPosition = 1080;    // static "position: %d"

// "Edit Marker".
inline constexpr unsigned kMarkerEditDialog = 164;
inline constexpr unsigned kMarkerEditEdit = 1001;
inline constexpr unsigned kMarkerEditDelete = 1002;
inline constexpr unsigned kMarkerEditList = 1008;  // one line per region, tab stops
// Tab stops of the list's columns, in dialog units.
inline constexpr int kMarkerEditTabStops[2] = {30, 160};

// Adds both templates to the resources unless they are there already.
void RegisterMarkerDialogs();

}  // namespace qova::resources
