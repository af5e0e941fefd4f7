#pragma once
// Dialog template of the integration parameters: what to sum over the
// samples, the shortest run counted, the sample order and the figure's title.
namespace qova::resources {

// "Set the Integration Parameters".
inline constexpr unsigned kIntegrationDialog = 150;
// Mode radios, in the order of the template's group.
inline constexpr unsigned kIntegrationGainsAndLosses = 1017;
inline constexpr unsigned kIntegrationHomozygousDeletions = 1019;
inline constexpr unsigned kIntegrationHighAmplifications = 1020;
inline constexpr unsigned kIntegrationLoh = 1021;
inline constexpr unsigned kIntegrationAllelicImbalance = 1022;
inline constexpr unsigned kIntegrationCopyNumberChange = 1023;
inline constexpr unsigned kIntegrationMarkedImbalance = 1026;
inline constexpr unsigned kIntegrationUserMarker = 1018;
// The user marker number "0".."6" of the UserMarker radio.
inline constexpr unsigned kIntegrationMarkerNumber = 1015;
// "Number of continuous SNPs" and its up-down.
inline constexpr unsigned kIntegrationRunEdit = 1004;
inline constexpr unsigned kIntegrationRunUpDown = 1067;
// Sample order radios.
inline constexpr unsigned kIntegrationOrderById = 1024;
inline constexpr unsigned kIntegrationOrderByAmount = 1025;
inline constexpr unsigned kIntegrationTitle = 1005;
inline constexpr unsigned kIntegrationAddCurrentSet = 1006;

// Adds the template to the resources unless it is there already.
void RegisterIntegrationDialog();

}  // namespace qova::resources
