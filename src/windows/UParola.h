#pragma once
// A password window: the operator's own new password (the current one, the new one twice),
// or, for an operator with the operators register's right, another operator's new password
// with "change at next login".

#include "framework/UMainLibraryClass.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;

class TFParola : public TMainLibraryClass
{
    Q_OBJECT
public:
    enum TMode { pmOwn, pmOther };
    explicit TFParola(TMode mode, int operatorId = 0, QWidget *parent = nullptr);

    bool InitializeWindow() override;
    void acParolaSaveExecute();
    void acParolaCloseExecute();

    QGroupBox *gbParola;
    QLabel *lInfoParolaOperator, *lInfoParolaCurrent, *lInfoParolaNew, *lInfoParolaRepeat, *lInfoParolaRule;
    QLineEdit *edParolaCurrent, *edParolaNew, *edParolaRepeat;
    QCheckBox *cbParolaChangeAtLogin;
    QToolButton *btParolaSave, *btParolaClose;
    QAction *acParolaSave, *acParolaClose;

private:
    TMode m_mode;
    int m_operator;
};
