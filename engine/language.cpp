#include "engine/language.h"

namespace sif {

int g_bEnglish = 0;
int g_bMsgEnglish = 0;

void SetMessageLanguage(int english) {
    g_bMsgEnglish = english;
}

}  // namespace sif
