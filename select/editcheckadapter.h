#pragma once
// The record edit checks as the object list's last idle-time job.

#include "db/editchecks.h"
#include "select/objectlist.h"

namespace vespario {

class EditCheckAdapter : public EditCheckWork {
public:
    EditCheckAdapter(CVesparioDoc &doc, EditChecks &checks) : m_doc(doc), m_checks(checks) {}

    bool Done() const override { return m_checks.Done(); }
    void Slice(uint32_t deadline) override { m_checks.EditCheckSlice(deadline); }
    int FirstPassPosition() const override;
    void SetFirstPassPosition(int position) override;

private:
    CVesparioDoc &m_doc;
    EditChecks &m_checks;
};

} // namespace vespario
