#include "ui/searchdialog.h"

#include "ui/greektext.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vespario::ui {
namespace {

// While a walk runs and lets events through, the only input that arrives is a click on
// Cancel or the Escape key: nothing may change the records or the list under the walk.
class CancelOnlyInput : public QObject {
public:
    CancelOnlyInput(SearchWalk &walk, QPushButton *cancel) : m_walk(walk), m_cancel(cancel) {
        qApp->installEventFilter(this);
    }
    ~CancelOnlyInput() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        // A message box the walk shows (a pattern's error) takes its answer as usual.
        if (QApplication::activeModalWidget())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                m_walk.RequestCancel();
            return !watched->isWindowType();
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // A window hands the click on to the widget under the mouse, which decides.
            return !watched->isWindowType() && watched != m_cancel;
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
            return !watched->isWindowType();
        case QEvent::Close:
            return event->spontaneous() && !watched->isWindowType();
        default:
            return false;
        }
    }

private:
    SearchWalk &m_walk;
    QPushButton *m_cancel;
};

// The box's list becomes the history, newest first, keeping the text being typed.
void ShowHistory(QComboBox *box, const std::vector<std::string> &entries, int greekSet) {
    QStringList items;
    for (const std::string &entry : entries)
        items << DecodeRecordText(entry, greekSet);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (items == shown)
        return;
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setEditText(text);
}

} // namespace

SearchDialog::SearchDialog(SearchHooks hooks, int greekSet, platform::IniProfile &profile,
                           QWidget *parent)
    : ToolWindow(profile, "SearchDlgPos", QStringLiteral("search.html"), parent),
      m_hooks(std::move(hooks)), m_greekSet(greekSet),
      m_find(AddBox(QStringLiteral("Find"), QStringLiteral("The pattern to look for"))),
      m_replace(AddBox(QStringLiteral("Replace"),
                       QStringLiteral("What a match becomes; \\0 to \\9 stand for its groups"))),
      m_lookIn(new QComboBox(this)), m_objects(new QComboBox(this)),
      m_search(AddButton(QStringLiteral("&Search"),
                         QStringLiteral("Finds the next match behind the cursor"))),
      m_replaceOne(AddButton(QStringLiteral("&Replace"),
                             QStringLiteral("Replaces the selected match and finds the next"))),
      m_replaceAll(AddButton(QStringLiteral("Replace &All"),
                             QStringLiteral("Replaces every match in the selected objects"))),
      m_cancel(AddButton(QStringLiteral("Cancel"), QStringLiteral("Stops the running search"))),
      m_wildcards(AddButton(QStringLiteral("&Wildcard Help"),
                            QStringLiteral("Opens the page on the pattern language"))),
      m_status(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Search and Replace"));
    for (const LookInEntry &entry : kLookIn)
        m_lookIn->addItem(
            QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
    m_objects->addItems({QStringLiteral("any object"), QStringLiteral("current object")});
    m_lookIn->setAccessibleName(QStringLiteral("Look In"));
    m_lookIn->setAccessibleDescription(QStringLiteral("The fields searched"));
    m_objects->setAccessibleName(QStringLiteral("Objects searched"));
    m_objects->setAccessibleDescription(
        QStringLiteral("All selected objects, or only the current one"));
    m_status->setAccessibleName(QStringLiteral("Search status"));
    m_search->setDefault(true);

    auto *where = new QHBoxLayout;
    where->addWidget(m_lookIn, 1);
    where->addWidget(m_objects);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Find:"), m_find);
    form->addRow(QStringLiteral("R&eplace:"), m_replace);
    auto *lookInLabel = new QLabel(QStringLiteral("Look &In:"), this);
    lookInLabel->setBuddy(m_lookIn);
    form->addRow(lookInLabel, where);
    for (QPushButton *button : {m_wildcards, m_cancel, m_replaceAll, m_replaceOne, m_search})
        ButtonRow()->insertWidget(0, button);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addStretch(1);
    layout->addLayout(ButtonRow());

    connect(m_search, &QPushButton::clicked, this, [this] { Run(Command::Search); });
    connect(m_replaceOne, &QPushButton::clicked, this, [this] { Run(Command::Replace); });
    connect(m_replaceAll, &QPushButton::clicked, this, [this] { Run(Command::ReplaceAll); });
    connect(m_wildcards, &QPushButton::clicked, this,
            [this] { emit HelpAsked(QStringLiteral("patterns.html")); });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (SearchWalk *walk = m_hooks.walk())
            walk->RequestCancel();
    });
    connect(m_find, &QComboBox::editTextChanged, this, &SearchDialog::Refresh);
    Refresh();
    RestorePosition();
}

QComboBox *SearchDialog::AddBox(const QString &name, const QString &description) {
    auto *box = new QComboBox(this);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert); // the walk keeps the history
    box->setAccessibleName(name);
    box->setAccessibleDescription(description);
    box->setMinimumContentsLength(30);
    return box;
}

QPushButton *SearchDialog::AddButton(const QString &text, const QString &description) {
    auto *button = new QPushButton(text, this);
    button->setAutoDefault(false);
    button->setAccessibleDescription(description);
    return button;
}

void SearchDialog::Run(Command command) {
    SearchWalk *walk = m_hooks.walk();
    if (!walk || walk->Running())
        return;
    const SearchCursor cursor = m_hooks.cursor();
    walk->SetLookIn(m_lookIn->currentIndex());
    walk->SetCurrentObjectOnly(m_objects->currentIndex() == 1);
    const std::string find = EncodeRecordText(m_find->currentText(), m_greekSet);
    const std::string replace = EncodeRecordText(m_replace->currentText(), m_greekSet);
    m_running = true;
    Refresh();
    m_status->setText(command == Command::ReplaceAll ? QStringLiteral("Replacing All...")
                                                     : QStringLiteral("Searching..."));
    SearchWalk::Result result = SearchWalk::Result::Nothing;
    {
        const CancelOnlyInput onlyCancel(*walk, m_cancel);
        walk->SetInputPoll([this, walk] {
            m_status->setText(QString::fromLatin1(walk->Status()));
            QCoreApplication::processEvents();
        });
        m_hooks.started();
        switch (command) {
        case Command::Search:
            result = walk->Search(find, cursor);
            break;
        case Command::Replace:
            result = walk->Replace(find, replace, cursor);
            break;
        case Command::ReplaceAll:
            result = walk->ReplaceAll(find, replace);
            break;
        }
        walk->SetInputPoll({});
        m_hooks.ended(command != Command::Search);
    }
    m_running = false;
    ShowHistory(m_find, walk->FindHistory().Entries(), m_greekSet);
    ShowHistory(m_replace, walk->ReplaceHistory().Entries(), m_greekSet);
    Refresh();
    if (result == SearchWalk::Result::Found)
        m_hooks.showMatch();
}

void SearchDialog::Refresh() {
    SearchWalk *walk = m_hooks.walk();
    if (walk && !m_running)
        m_status->setText(QString::fromLatin1(walk->Status()));
    const bool ready = walk && !m_running && !m_find->currentText().isEmpty();
    m_search->setEnabled(ready);
    m_replaceOne->setEnabled(ready && walk->CanReplace());
    m_replaceAll->setEnabled(ready && walk->CanReplace());
    m_cancel->setEnabled(m_running);
    for (QWidget *control : std::initializer_list<QWidget *>{m_find, m_replace, m_lookIn, m_objects,
                                                             m_wildcards, CloseButton()})
        control->setEnabled(!m_running);
}

} // namespace vespario::ui
