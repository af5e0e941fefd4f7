#pragma once
// Every user setting of the program in one record. One instance lives for the
// whole run in the application-wide data object; settings sheets edit a copy
// and assign it back on OK. Stored fields are named after their settings-file
// keys; fields that are set at every start and never stored have descriptive
// names.
#include <string>

#include "core/DisplaySetting.h"
#include "platform/Profile.h"

class CProgramSetting {
 public:
  // Every field at the value a settings file without our keys gives, the start
  // folder empty.
  CProgramSetting();

  // Reads every stored key (a missing key gives its default) and sets the
  // fields that every run starts with. Leaves StartFolder, MorekomiRate and
  // UseLDForLOH alone.
  void LoadFromProfile(const platform::Profile& profile = platform::AppProfile());
  // Writes every stored key in one settings-file update; NONSELFALLELE is never
  // written, so "Use Zenkor" lasts for the run only. False when the settings
  // could not be persisted.
  bool SaveToProfile(platform::Profile& profile = platform::AppProfile()) const;

  // Copied whole by every view.
  CDisplaySetting Display;

  // Folders; once chosen on the Folders page they end with a separator, so a
  // file name is appended directly.
  std::string DefaultDataFolder;            // CHP and CEL files
  std::string DefaultArrayDataFolder;       // extracted samples (.CFH)
  std::string DefaultLibraryFolder;         // library (CDF) files
  std::string DefaultAnalysisResultFolder;  // .CFS/.CFN/.CFA and the groups file
  std::string DefaultOutputFolder;          // text exports
  // The current folder at start-up; its "data" folder holds the fixed tables.
  std::string StartFolder;

  // Automatic (batch) analysis.
  int MAXREF;         // most references taken
  int DOSELF;         // run the self analysis
  int DONONSELF;      // run the non-self analysis
  int SKIPALREADY;    // skip samples already analysed
  int LIMITREF;       // limit references by an attribute
  int LIMITREFATTR;   // which attribute, 1..5
  int LIMITREFIDENT;  // 1: attribute identical to the sample's; 0: equal to LIMITREFSTR
  std::string LIMITREFSTR;
  int EXCLUDESELF;    // keep the sample's own self reference out of its non-self references

  // Allele-specific (Zenkor) two-state models: allelic imbalance (AI), LOH and
  // UPD; regions found get the marker kind 32 + the MARK value.
  float THRESHOLD, ALPHA, BETA, KOSAMBI;
  int MARKAI;
  float THRESHOLDS, ALPHAS, BETAS, KOSAMBIS;
  int MARKLOH;
  float THRESHOLDL, ALPHAL, BETAL, KOSAMBIL;
  int MARKUPD;
  int LOHOP;   // the Zenkor page's "LOH" list; no computation reads it yet
  int XOP;     // the Zenkor page's "X chromosome" list; no computation reads it yet
  int AUTOAI;  // run the AI/LOH/UPD models in the allele-specific non-self analysis

  // Fixed at every start; only the Extra page changes them.
  int NotLimitToHeteroSNPs;  // allele series use every valid SNP, not only heterozygous ones
  int MovingAverageWindow;   // 1 or less: no smoothing
  int HideExcludedBeforeCompensation;
  int HideExcludedAfterCompensation;
  int PanelDrawFlag;      // the HMM lines of chromosome X are drawn while set
  float AlleleAmplitude;  // factor on the centred allele-difference average
  int SampleSpacing;      // base row height of the multiple-sample grid
  int LeftMargin;         // divisor of the multiple grid's extra left margin
  int SampleNameX;
  int SampleNameY;
  int ScrollMultiple;

  // Non-self analysis also runs the allele-specific steps and writes .CFA
  // instead of .CFN. Read from the settings file, never written.
  int NONSELFALLELE;

  int MorekomiCompensation;   // compensate contamination in the log2 ratio
  float MorekomiRate;         // the contamination rate of that compensation
  int UseNormalDistribution;  // HMM emission Gaussian (1) or log-F (0)
  int UseLDForLOH;            // LOH analysis with linkage-disequilibrium data
  int IntegralMarginMode;     // 0 minimum, 1 maximum, 2 intermediate
  // 0 length and GC content, 1 length only, 2 GC content only, 3 adjust the
  // mean only, 4 none.
  int RegressionMode;
  int UseFileList;  // read sample headers through the sample-file index
  float HeteroRate;
  float MissHeteroRate;
  float ExtraKosambi;

  // Association test.
  int ANALYSISTYPE;  // by allele (0) or by sample (1)
  float SAMPLE_CALLRATE;   // exclude samples whose call rate is below
  float SNP_CALLRATE;      // exclude SNPs whose call rate is below
  float SNP_MAF;           // exclude SNPs whose minor allele frequency is below
  float SNP_CALLRATE_DIF;  // exclude SNPs whose case/control call-rate difference exceeds
  int NUM_PERMUTATION;

 private:
  void SetStartOfRunValues();
};
