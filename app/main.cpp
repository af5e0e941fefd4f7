// QOVA: copy number and loss of heterozygosity from SNP genotyping arrays.
#include "app/QtStartup.h"

int main(int argc, char** argv) { return qova::app::RunOnQt(argc, argv); }
