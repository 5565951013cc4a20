#include "select/sortedit.h"

#include "select/objectlist.h"

namespace vespario {

std::string_view AddKeyCaption(int selected, int count) {
    return selected >= 0 && selected < count ? "Insert" : "Add";
}

int NewKeyPosition(int selected, int count) {
    return selected >= 0 && selected < count ? selected : count;
}

SortKey NewSortKey(int32_t field) {
    return SortKey{field, 0, 0};
}

std::string_view CaseText(const SortKey &key) {
    return key.caseSensitive != 0 ? "Sensitive" : "Insensitive";
}

std::string_view OrderText(const SortKey &key) {
    return key.direction != 0 ? "Descending" : "Ascending";
}

void EndSortDialog(ObjectList &list, const SortOrder &edited, DialogEnd end) {
    switch (end) {
    case DialogEnd::Accept:
        list.AcceptSortOrder(edited);
        break;
    case DialogEnd::Revert:
        list.RevertSortOrder();
        break;
    case DialogEnd::RememberAndDefineNew:
        list.AcceptSortOrder(edited);
        list.RememberSortOrderAndDefineNew();
        list.RestartSelection();
        list.PausePass(true); // the dialog opens again
        break;
    }
}

void CancelSortDialog(ObjectList &list) {
    list.PausePass(false);
}

} // namespace vespario
