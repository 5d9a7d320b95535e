#pragma once
// Who makes the program and how to reach them.

#include "framework/UMainLibraryClass.h"

class QGroupBox;
class QLabel;
class TFormInfo;

class TFAbout : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFAbout(QWidget *parent = nullptr);

    QGroupBox *gbAboutInformations;
    QLabel *lAboutFirmName, *lAboutFirmInfo_1, *lAboutFirmInfo_2, *lAboutFirmInfo_3;
    TFormInfo *FormInfo1;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
};
