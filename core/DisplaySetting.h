#pragma once
// The appearance settings of the views: print and screen sizes, scales, item
// masks, colours, pens and marker drawing. Every view keeps a private copy of
// this block and copies it whole, so it stays a flat record of 88 32-bit words
// in a fixed order: members are grouped by the settings-file section that
// holds them and named after their keys.
#include <cstdint>
#include <type_traits>

#include "platform/Profile.h"
#include "platform/Types.h"

// A colour as 0x00BBGGRR.
using COLORREF = DWORD;

struct CDisplaySetting {
  // Sizes are per cent of the natural size; the three view kinds are the
  // all-chromosome view, the single-chromosome view and the multiple view.
  struct PrintKeys {
    int ALL_X, ALL_Y, EACH_X, EACH_Y, MULTI_X, MULTI_Y;
    int ONE_ALL, ONE_EACH, ONE_MULTI;  // fit the view on one page
  };
  struct DispKeys {
    int ALL_X, ALL_Y, EACH_X, EACH_Y, MULTI_X, MULTI_Y;
  };
  struct ScaleKeys {
    int SELF_ISLOG;     // allele-specific plots on a log scale
    int NONSELF_ISLOG;  // non-self plots on a log scale
    int MAG_SELF, MAG_NONSELF;  // magnification in per cent
  };
  struct ItemKeys {
    int MULTI;     // item mask of the multiple view
    int SELF;      // item mask of the allele-specific single-sample view
    int NONSELF;   // item mask of the non-self single-sample view
    int MULTIALL;  // item mask of the whole-genome view
    int HMMHONLY;  // draw the HMM as horizontal lines only
    int SNPINTERVALWGV;  // SNP interval of the whole-genome view
  };
  struct ColorKeys {
    COLORREF C1, C2, C3, C4, C5, C6, C7, C8, C9, C10, C11;  // plot colours
    int W1, W2, W3, W4;  // line widths
    // Pen styles (0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none)
    // of the base line, the +-1 lines and the +-0.5 lines.
    int LINETYPE9, LINETYPE10, LINETYPE11;
  };
  struct Color2Keys {
    // Marks for a SNP whose PCR fragment is the same as, next to, or one apart
    // from the previous SNP's, and for a SNP above 2 SD.
    COLORREF SAME, NEXT, ONE, TWO_SD;  // TWO_SD is the key "2SD"
    int FRAG;  // colour copy-number dots by fragment distance
    int SD;    // colour copy-number dots by deviation
    int FRAG_SAME, FRAG_NEXT, FRAG_ONE, SD_2SD;
  };
  struct ColorMKeys {
    COLORREF CN[7];   // copy-number gradient, copy numbers 0..6 (keys CN0..CN6)
    COLORREF LOH[5];  // LOH-likelihood gradient (keys LOH0..LOH4)
    int thLOH1, thLOH2, thLOH3, thLOH4;  // ascending boundaries between the steps
  };
  struct IntegrateKeys {
    // Positive, high amplification, negative, homozygous deletion.
    COLORREF COL1, COL2, COL3, COL4;
    int WIDTH;  // sample lane width
  };
  struct MarkerKeys {
    int WIDTH;     // marker line width
    int INTERVAL;  // marker interval
    COLORREF COL[7];  // user markers 0..6 (keys COL0..COL6)
  };

  // Every field at the value a settings file without our keys gives.
  CDisplaySetting();

  // Reads the stored keys (a missing key gives its default), then resets the
  // layout words, which are never stored.
  void LoadFromProfile(const platform::Profile& profile = platform::AppProfile());
  // Writes the stored keys (not the layout words). False when the settings
  // could not be persisted.
  bool SaveToProfile(platform::Profile& profile = platform::AppProfile()) const;
  void ResetLayoutWords();

  PrintKeys PRINT;
  DispKeys DISP;
  ScaleKeys SCALE;
  ItemKeys ITEMS;
  ColorKeys COLOR;
  Color2Keys COLOR2;
  ColorMKeys COLORM;
  IntegrateKeys INTEGRATE;
  MarkerKeys MARKER;

  // Layout of the multiple-sample grid; set on every load, never stored.
  int MultiTopMargin;    // space between the samples
  int MultiGapPercent;   // left margin of the graph
  int MultiNameX;        // sample-name position
  int MultiNameY;
  int MultiNameScrolls;  // the sample names scroll with the grid
};

// Views copy the block as 88 words; keep it that way.
static_assert(sizeof(CDisplaySetting) == 88 * sizeof(std::int32_t));
static_assert(std::is_trivially_copyable_v<CDisplaySetting>);
static_assert(std::is_standard_layout_v<CDisplaySetting>);
