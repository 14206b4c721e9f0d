// The filter field's containment test: the query trimmed of spaces and tabs
// at both ends (line breaks stay), and texts compared without regard to case,
// diacritics or character width, as the desktop's own search fields do.
#pragma once

#include <QString>

// The query with leading and trailing spaces and tabs removed.
QString trimmedQuery(const QString& query);
// A text in the form the test compares: compatibility-decomposed, without
// combining marks, case-folded. A folded text contains a folded query exactly
// when the original contains the query under the test.
QString foldedForSearch(const QString& text);
