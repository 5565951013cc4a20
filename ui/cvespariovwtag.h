#pragma once
// The checkbox view: one box for each entry of the checkbox vocabulary, checked when the
// current record's CheckBoxes field holds the entry's code character.

#include <QWidget>

#include <vector>

class QCheckBox;
class QVBoxLayout;

namespace vespario {
class CVesparioDoc;
class SettingsVocabularies;
} // namespace vespario

namespace vespario::ui {

class CVesparioVwTag : public QWidget {
    Q_OBJECT
public:
    CVesparioVwTag(CVesparioDoc &doc, SettingsVocabularies &vocabularies,
                   QWidget *parent = nullptr);

    // Loads the current record (rebuilding the boxes first when the vocabulary changed).
    void Load();
    const std::vector<QCheckBox *> &Boxes() const { return m_boxes; }

signals:
    // A right click on a checkbox: the frame shows the quick commands for its code.
    void CheckboxMenuAsked(char code, const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Rebuild();
    void Toggled(size_t box, bool checked);

    CVesparioDoc &m_doc;
    SettingsVocabularies &m_vocabularies;
    QVBoxLayout *m_layout;
    std::vector<QCheckBox *> m_boxes;
    std::vector<char> m_codes;
    bool m_loading = false;
};

} // namespace vespario::ui
