#pragma once
// Two controls the windows' layouts name that Qt has no class for.

#include <QGroupBox>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

// A captioned group of radio buttons, one per item, with one chosen index.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent = nullptr);

    void SetItems(const QStringList &items);
    QStringList Items() const;
    int ItemCount() const;
    void SetItemText(int index, const QString &text);
    QRadioButton *ItemButton(int index) const;
    int ItemIndex() const;
    void SetItemIndex(int index);

signals:
    void ItemIndexChanged(int index);

private:
    QButtonGroup *m_group;
    QVBoxLayout *m_layout;
    QList<QRadioButton *> m_buttons;
};

// One page of a QTabWidget whose caption is the text of its tab.
class TTabSheet : public QWidget
{
    Q_OBJECT
public:
    explicit TTabSheet(QWidget *parent = nullptr);
    QString Caption() const;
    void SetCaption(const QString &caption);

private:
    QString m_caption;
};
