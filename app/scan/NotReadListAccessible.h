// The not-read list as assistive technology reads it: a section's heading as
// a heading that cannot be selected, each entry as a list item named by its
// path and reason. Qt's own interface for a list view makes every row an
// item. Main thread only.
#pragma once

class QListView;

namespace NotReadListAccessible {

// For the view, which shows a NotReadListModel.
void install(QListView& view);

}  // namespace NotReadListAccessible
