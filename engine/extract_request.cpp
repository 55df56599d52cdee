#include "engine/extract_request.h"

namespace sif {

void SetDelimiterField(char (&field)[kDelimiterFieldSize], const char* text) {
    int i = 0;
    for (; text != nullptr && i < kDelimiterFieldSize - 1 && text[i] != '\0'; ++i) {
        field[i] = text[i];
    }
    field[i] = '\0';
}

}  // namespace sif
