#pragma once
// The first start on a computer without server settings: instead of an error and the raw
// configuration form, three ways in — the demonstration hotel, a new empty hotel database on
// this computer, or a connection to a database server.

#include "framework/UMainLibraryClass.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFFirstStart : public TMainLibraryClass
{
    Q_OBJECT
public:
    enum TChoice { fsNone, fsDemo, fsNewHotel, fsServer };
    explicit TFFirstStart(QWidget *parent = nullptr);

    bool InitializeWindow() override;
    // What was done (demo, new hotel: the settings and the database are ready) or asked for.
    TChoice Choice() const { return m_choice; }

    void btFirstStartDemoClick();
    void btFirstStartNewClick();
    void btFirstStartServerClick();
    void btFirstStartExitClick();

    QGroupBox *gbFirstStart;
    QLabel *lInfoFirstStart, *lInfoFirstStartName;
    QLineEdit *edFirstStartName;
    QPushButton *btFirstStartDemo, *btFirstStartNew, *btFirstStartServer, *btFirstStartExit;

private:
    // Runs a way in; a failure is said and the assistant stays for another choice.
    void Make(TChoice choice, const std::function<void()> &work);
    TChoice m_choice = fsNone;
};
