// The name a path ends in, as a file URL made from it would give it: trailing
// "/" ignored, "/" for the root itself. Shown verbatim wherever a folder is
// named by its last component.
#pragma once

#include <QString>

QString lastPathComponent(const QString& path);
