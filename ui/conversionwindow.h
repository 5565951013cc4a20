#pragma once
// The base of the three conversion tools: one labelled line a field of the tool's model,
// the hint line under them, and the binding. The field with the focus shows its format in
// the hint; a finished edit (Return or leaving a changed field) goes to the model, and the
// other fields are rewritten from it. A refused text is left as typed for the user to
// correct, the model beeps and its hint says ILLEGAL, and the other fields keep their values.

#include "ui/toolwindow.h"

#include <string>
#include <string_view>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;
#include <QVBoxLayout>

namespace vespario::ui {

class ConversionWindow : public ToolWindow {
    Q_OBJECT
public:
    using ToolWindow::ToolWindow;
    ~ConversionWindow() override;

    QLineEdit *Field(int field) const { return m_fields.at(static_cast<size_t>(field)); }
    QLabel *FieldLabel(int field) const { return m_labels.at(static_cast<size_t>(field)); }
    QLabel *HintLine() const { return m_hint; }

    // Every field and the hint shown again from the model, except the field keep (-1: none).
    void ShowModel(int keep = -1);

protected:
    // The model behind the window.
    virtual int FieldCount() const = 0;
    virtual QString LabelOf(int field) const = 0;
    // The format a field takes, as its hint gives it after "Format: ".
    virtual QString FormatOf(int field) const = 0;
    virtual QString UnitOf(int field) const {
        (void)field;
        return {};
    }
    virtual std::string TextOf(int field) const = 0;
    virtual std::string HintText() const = 0;
    virtual void FocusField(int field) = 0;
    virtual bool EditField(int field, std::string_view text) = 0;
    // After ShowModel: what else the subclass shows from the model.
    virtual void ShowExtras() {}

    // Builds the fields and the hint line; the subclass calls it at the end of its
    // constructor (with extra widgets added to Extras() before) and then RestorePosition.
    void BuildFields();
    QVBoxLayout *Extras() const { return m_extras; }

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Finish(int field);

    std::vector<QLineEdit *> m_fields;
    std::vector<QLabel *> m_labels;
    QLabel *m_hint = nullptr;
    QVBoxLayout *m_extras = new QVBoxLayout; // laid out by BuildFields
};

} // namespace vespario::ui
