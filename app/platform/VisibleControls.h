// The text a name or a path shows on screen. Bidirectional formatting
// characters (embeddings, overrides, isolates and the invisible marks) would
// reorder what follows them, so that "invoice\u202Etxt.exe" reads
// "invoiceexe.txt": each is written out as its code point, "<U+202E>", and
// the name reads in the order of its characters. Only for display: the
// name itself, its accessible text and every comparison keep the original.
#pragma once

#include <QString>

QString withVisibleControls(const QString& text);
