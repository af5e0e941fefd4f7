// QOVA: copy number and loss of heterozygosity from SNP genotyping arrays.
#include <cstdio>

int main() {
  std::printf("QOVA 0.1.0\n");
  return 0;
}
