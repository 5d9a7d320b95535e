#pragma once
// The access-rights editor: the operators as a tree, and fifty switches in ten folding
// groups that show and edit the selected operator's privilege string.

#include "framework/UMainLibraryClass.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;
class TADOQuery;
class TAdoGridModel;
class TFormInfo;
class TKalvMenuControl;

// A rounded-square switch; its hint is its position in the privilege string ("0" for headers).
class TShapeSwitch : public QWidget
{
    Q_OBJECT
public:
    explicit TShapeSwitch(const QString &hint, QWidget *parent = nullptr);
    QString Hint() const { return toolTip(); }
    QColor Colour() const { return m_colour; }
    void SetColour(const QColor &colour);

    static const QColor Red, Green, MoneyGreen;

signals:
    void MouseUp();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_colour = Red;
};

class TFSigurnost : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFSigurnost(QWidget *parent = nullptr);

    bool InitializeWindow() override;
    void TreeView1Change(QTreeWidgetItem *node);
    // Starts a panel folding or unfolding; it moves a step on every tick of the fold timer.
    void TogglePanel(QFrame *panel, TShapeSwitch *header);
    void FoldStep();
    bool Folding() const { return !m_foldTarget.isEmpty(); }
    void SetPrivilegeChar(TShapeSwitch *shape, QString &privileges);
    void SwitchMouseUp(TShapeSwitch *shape);
    void ShapeL1MouseUp();
    void acSaveExecute();
    void acCancelExecute();
    void acCloseExecute();

    // The string being edited in this window; every window has its own.
    QString EditedPrivileges;
    static constexpr int RightsCount = 50;

    TKalvMenuControl *smcFSigurnost;
    QAction *acSave, *acCancel, *acClose;
    QTableView *DBGrid1;
    QTreeWidget *TreeView1;
    QLineEdit *Edit1, *Edit2;
    QScrollArea *ScrollBox1;
    QList<QFrame *> Panels;               // P1 to P10
    QList<TShapeSwitch *> HeaderSwitches;  // ShapeL1 to ShapeL10
    QList<TShapeSwitch *> RightSwitches;   // the fifty, in layout order
    TShapeSwitch *SwitchAt(int position) const;
    // The caption of the right at a position, as its label beside the switch shows it.
    QString RightCaption(int position) const;
    TADOQuery *ADOQuery1;
    TFormInfo *FormInfo1;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildGroups(QWidget *box);
    // Places the rights of each group in as many columns as their widest caption lets fit
    // (three, two or one), so no caption is cut short in any language.
    void LayOutRights();
    int SelectedOperatorId(bool *ok) const;
    TAdoGridModel *m_gridModel;
    class QTimer *m_foldTimer;
    QHash<QFrame *, int> m_foldTarget;
    QHash<int, class QLabel *> m_rightLabels;
    QHash<QFrame *, int> m_openHeight;  // a group's height when open, from its rows

public:
    QLabel *lRightsTakeEffect;
};
