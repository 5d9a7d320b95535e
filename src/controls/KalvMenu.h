#pragma once
// The command bar of the register and operation windows: a toolbar of captioned buttons that,
// on its first paint, moves into a band container of its own at the top of its window.

#include <QFrame>
#include <QPointer>
#include <QToolBar>
#include <functional>

class QAction;
class QMainWindow;

class TKalvMenuControl : public QToolBar
{
    Q_OBJECT
public:
    explicit TKalvMenuControl(QMainWindow *owner);
    ~TKalvMenuControl() override;

    // Adds a captioned button of the usual size bound to the action.
    QAction *AddCommand(QAction *action);
    // A command of the bar's window: its action named for its caption key, the handler bound.
    QAction *AddCommand(const QString &name, const QString &caption, std::function<void()> handler);
    QFrame *CoolBar() const { return m_coolBar; }
    // What Enter in the window runs: by default the command the key table marks; a window whose
    // default depends on its state (the folio's page) says it here. Nothing: Enter does nothing.
    void SetDefaultCommand(std::function<QAction *()> choose);
    QAction *DefaultCommand() const;
    bool Embedded() const { return m_embedded; }
    // Moves the toolbar into its band now; done by the first paint otherwise.
    void Embed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void RunDefaultCommand();
    QMainWindow *m_owner;
    QAction *m_default = nullptr;
    std::function<QAction *()> m_chooseDefault;
    QAction *m_enter = nullptr;
    QPointer<QFrame> m_coolBar;
    bool m_constructed = false;
    bool m_embedded = false;
};
