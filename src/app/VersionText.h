#pragma once
// The program's version text, "major.minor.release.build", from the version
// the build gives the program.

#include <QString>

QString VersionText();
