#include "select/editcheckadapter.h"

#include "db/cvespariodoc.h"

namespace vespario {

int EditCheckAdapter::FirstPassPosition() const {
    return m_doc.EditCheckPassDone() ? -1 : m_doc.EditCheckCursor();
}

void EditCheckAdapter::SetFirstPassPosition(int position) {
    if (!m_doc.EditCheckPassDone() && position >= 0)
        m_doc.SetEditCheckCursor(position);
}

} // namespace vespario
