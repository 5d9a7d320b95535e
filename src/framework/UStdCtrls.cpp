#include "UStdCtrls.h"
#include "UFormatSettings.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QDateEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QGridLayout>
#include <QVBoxLayout>
#include <QDir>
#include <QFileDialog>
#include <QMouseEvent>

TRadioGroup::TRadioGroup(QWidget *parent)
    : QGroupBox(parent), m_group(new QButtonGroup(this)), m_layout(new QGridLayout(this))
{
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit ItemIndexChanged(id);
    });
}

void TRadioGroup::SetItems(const QStringList &items)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setObjectName(objectName() + QString::number(i));
        m_group->addButton(button, i);
        // Items fill the columns top to bottom, as a radio group lays them out.
        const int rows = (int(items.size()) + m_columns - 1) / m_columns;
        m_layout->addWidget(button, i % rows, i / rows);
        m_buttons.append(button);
    }
}

void TRadioGroup::SetColumns(int columns)
{
    m_columns = qMax(1, columns);
    const QStringList items = Items();
    const int index = ItemIndex();
    SetItems(items);
    SetItemIndex(index);
}

QStringList TRadioGroup::Items() const
{
    QStringList items;
    for (const QRadioButton *button : m_buttons)
        items.append(button->text());
    return items;
}

int TRadioGroup::ItemCount() const { return int(m_buttons.size()); }

void TRadioGroup::SetItemText(int index, const QString &text)
{
    if (index >= 0 && index < m_buttons.size())
        m_buttons[index]->setText(text);
}

QRadioButton *TRadioGroup::ItemButton(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

int TRadioGroup::ItemIndex() const { return m_group->checkedId(); }

void TRadioGroup::SetItemIndex(int index)
{
    if (QRadioButton *button = ItemButton(index)) {
        button->setChecked(true);
    } else if (QAbstractButton *checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}

TTabSheet::TTabSheet(QWidget *parent) : QWidget(parent) {}

QString TTabSheet::Caption() const { return m_caption; }

void TTabSheet::SetCaption(const QString &caption)
{
    m_caption = caption;
    // The page sits in the tab widget's stack; the tab widget is its grandparent.
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            const int index = tabs->indexOf(this);
            if (index >= 0)
                tabs->setTabText(index, caption);
            break;
        }
    }
}

TClickLabel::TClickLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

TStaticText::TStaticText(const QString &text, QWidget *parent) : TClickLabel(text, parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAlignment(Qt::AlignCenter);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

namespace {
TOpenDialog::ExecuteHandler &executeHandler()
{
    static TOpenDialog::ExecuteHandler handler;
    return handler;
}
} // namespace

TOpenDialog::TOpenDialog(QObject *parent) : QObject(parent) {}

void TOpenDialog::SetExecuteHandler(ExecuteHandler handler) { executeHandler() = std::move(handler); }

QString TOpenDialog::QtFilter() const
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters.append(parts.at(i).trimmed() + QStringLiteral(" (") + parts.at(i + 1).trimmed() + QLatin1Char(')'));
    return filters.join(QStringLiteral(";;"));
}

bool TOpenDialog::Execute()
{
    if (executeHandler())
        return executeHandler()(*this);
    const QString chosen = QFileDialog::getOpenFileName(nullptr, QString(), FileName, QtFilter());
    if (chosen.isEmpty())
        return false;
    FileName = QDir::toNativeSeparators(chosen);
    return true;
}

QDateEdit *NewDatePicker(QWidget *parent, const QString &name, const QDate &day)
{
    auto *picker = new QDateEdit(day, parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(FormatSettings().ShortDateFormat);
    return picker;
}

TRadioGroup *AddPageRadioGroup(QWidget *page, const QString &name, const QString &title, const QStringList &items)
{
    auto *group = new TRadioGroup(page);
    group->setObjectName(name);
    group->setTitle(title);
    group->SetItems(items);
    group->SetItemIndex(0);
    static_cast<QBoxLayout *>(page->layout())->addWidget(group, 0, Qt::AlignTop);
    return group;
}
