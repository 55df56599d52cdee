#include "engine/classify_resource_line.h"

// Placeholder: filled in by the filters work.
namespace sif {
int g_bInStringTable = 0;
char g_szKeyword[kKeywordSize] = "";
int ClassifyResourceLine(const char*) { return 0; }
}  // namespace sif
