#pragma once
#include <QString>

namespace quillet {

// The per-user folder that holds the default data file and the translation file.
QString DataDirectory();
QString DefaultDataFilePath();
QString TranslationFilePath();

std::string ToLocal(const QString& s);
QString FromLocal(const std::string& s);

}  // namespace quillet
