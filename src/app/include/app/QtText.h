#pragma once
// The Qt boundary for text: the editor keeps Windows-1252 bytes, Qt wants QString.
#include "common/Text.h"

#include <QFile>
#include <QString>

#include <string>

namespace orvik {

inline QString ToQt(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }
inline std::string FromQt(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

// File paths travel in the file system's own encoding, not as Windows-1252. On Windows the core takes
// UTF-8 and opens files by their UTF-16 names, so no letter is lost to the ANSI code page.
#ifdef _WIN32
inline std::string PathFromQt(const QString& path) { return path.toStdString(); }
inline QString PathToQt(const std::string& path) { return QString::fromStdString(path); }
#else
inline std::string PathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }
inline QString PathToQt(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
#endif

} // namespace orvik
