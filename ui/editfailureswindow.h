#pragma once
// "Edit Failures": the modeless list of the record edit checks' failures, one line each,
// every line tied to its record. View goes to the selected line's record, View Next to the
// next line's; a prohibited-text line also selects the text in its field. The rectangle is
// kept under "EditErrsDlgPos".

#include "db/editchecks.h"
#include "ui/toolwindow.h"

#include <functional>
#include <utility>

class QListWidget;
class QPushButton;

namespace vespario::ui {

// Hands the edit checks' failures to the frame's Edit Failures window.
class FrameFailureSink : public EditFailureSink {
public:
    explicit FrameFailureSink(std::function<void(const EditFailure &, int)> add)
        : m_add(std::move(add)) {}
    void FailureAdded(const EditFailure &failure, int index) override { m_add(failure, index); }

private:
    std::function<void(const EditFailure &, int)> m_add;
};

class EditFailuresWindow : public ToolWindow {
    Q_OBJECT
public:
    EditFailuresWindow(platform::IniProfile &profile, QWidget *parent);

    // Adds a line: the record's ID, then the failure's line.
    void AddFailure(const EditFailure &failure, const QString &id);
    void Clear();
    QListWidget *List() const { return m_list; }
    QPushButton *ViewButton() const { return m_view; }
    QPushButton *ViewNextButton() const { return m_viewNext; }

signals:
    // Go to the record; field >= 0: select start..end of that field's text.
    void ViewAsked(int identity, int field, int start, int end);

private:
    void ViewRow(int row);

    QListWidget *m_list;
    QPushButton *m_view;
    QPushButton *m_viewNext;
};

} // namespace vespario::ui
