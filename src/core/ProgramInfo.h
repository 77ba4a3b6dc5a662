#pragma once

#include <QString>

// The program's version as the build stamps it (the project version in CMakeLists.txt).
namespace ProgramInfo {

QString ProgramVersion(); // "major.minor.release"
QString ProgramBuild();   // the fourth number
QString ProgramTitle();   // "Dunvik Shop Trader v" + version + "." + build
QString ProgramName();    // "Dunvik Shop Trader"

} // namespace ProgramInfo
