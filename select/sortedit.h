#pragma once
// The logic of the sort order dialog that is not widgets: the add button's caption and where
// a new key goes, the key a field gets when it is added, and what each way of ending the
// dialog does to the object list's sort orders.

#include "select/criteriaedit.h"
#include "select/sortorder.h"

#include <string_view>

namespace vespario {

class ObjectList;

// With a key selected (selected >= 0) the button reads "Insert" and the new key goes in
// front of the selected one, so that a key can be put anywhere; with none it reads "Add"
// and the key goes at the end.
std::string_view AddKeyCaption(int selected, int count);
int NewKeyPosition(int selected, int count);
// A newly added key ignores case and ascends, as the quick "Sort by" commands do.
SortKey NewSortKey(int32_t field);

// The texts of a key's "Case" and "Order" cells.
std::string_view CaseText(const SortKey &key);
std::string_view OrderText(const SortKey &key);

// Ends the sort dialog (opened on a copy of the current sort order, with the pass paused)
// with its edited keys. Accept makes them current; Revert drops the current sort order for
// the remembered one; RememberAndDefineNew makes them current, remembers them and pushes a
// new sort order (a copy when the user says so) for the dialog to open again on, the pass
// paused again. Each starts a new pass.
void EndSortDialog(ObjectList &list, const SortOrder &edited, DialogEnd end);
// Cancel: nothing changes and the paused pass goes on.
void CancelSortDialog(ObjectList &list);

} // namespace vespario
