#include "UAbout.h"

#include "framework/FormInfo.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QLabel *line(QGroupBox *box, const QString &name)
{
    auto *label = new QLabel(box);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->layout()->addWidget(label);
    return label;
}
} // namespace

TFAbout::TFAbout(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(420, 200);
    gbAboutInformations = new QGroupBox(QStringLiteral("Информация             "), this);
    gbAboutInformations->setObjectName(QStringLiteral("gbAboutInformations"));
    setCentralWidget(gbAboutInformations);
    new QVBoxLayout(gbAboutInformations);
    lAboutFirmName = line(gbAboutInformations, QStringLiteral("lAboutFirmName"));
    QFont title = lAboutFirmName->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    lAboutFirmName->setFont(title);
    lAboutFirmInfo_1 = line(gbAboutInformations, QStringLiteral("lAboutFirmInfo_1"));
    lAboutFirmInfo_2 = line(gbAboutInformations, QStringLiteral("lAboutFirmInfo_2"));
    lAboutFirmInfo_3 = line(gbAboutInformations, QStringLiteral("lAboutFirmInfo_3"));
    QFont underlined = lAboutFirmInfo_3->font();
    underlined.setUnderline(true);
    lAboutFirmInfo_3->setFont(underlined);
    FormInfo1 = new TFormInfo(this, QStringLiteral("FAbout"));
    FormCreate();
}

void TFAbout::FormCreate() { LoadContainerCaptions(gbAboutInformations); }

void TFAbout::closeEvent(QCloseEvent *event)
{
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}
