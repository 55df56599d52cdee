// QString from and to the single-byte code page of dialog texts.
#pragma once

#include <QString>
#include <string>

namespace sif::qt {

QString FromCp1252(const std::string& text);
// Characters the code page lacks become '?' (and *exact = false).
std::string ToCp1252(const QString& text, bool* exact = nullptr);

// A static text's display form: "&&" shows one '&', a single '&' marks the
// next letter as mnemonic and is not shown.
QString WithoutPrefixMarks(const QString& text);

}  // namespace sif::qt
