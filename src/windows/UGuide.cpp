#include "UGuide.h"

#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "startup/UConstMessagesReports.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

TFGuide::TFGuide(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FGuide"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 640);
    smcGuide = new TKalvMenuControl(this);
    smcGuide->setObjectName(QStringLiteral("smcGuide"));
    acGuideBack = smcGuide->AddCommand(QStringLiteral("acGuideBack"), QStringLiteral("Назад"),
                      [this] { acGuideBackExecute(); });
    acGuideHome = smcGuide->AddCommand(QStringLiteral("acGuideHome"), QStringLiteral("Съдържание"),
                      [this] { acGuideHomeExecute(); });
    acGuideLanguage = smcGuide->AddCommand(QStringLiteral("acGuideLanguage"), QStringLiteral("English"),
                          [this] { acGuideLanguageExecute(); });
    acClose = smcGuide->AddCommand(QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    tbGuide = new QTextBrowser(this);
    tbGuide->setObjectName(QStringLiteral("tbGuide"));
    tbGuide->setOpenExternalLinks(true);
    setCentralWidget(tbGuide);
    connect(tbGuide, &QTextBrowser::backwardAvailable, acGuideBack, &QAction::setEnabled);
    acGuideBack->setEnabled(false);
    FormInfo1 = new TFormInfo(this, QStringLiteral("FGuide"));
    FormInfo1->SetDesignedSize(size());
}

QString TFGuide::GuideLanguage(TLanguage language) { return language == slBulgarian ? QStringLiteral("bg") : QStringLiteral("en"); }

QString TFGuide::GuidePage(const QString &guideLanguage)
{
    return TSystemWinOS::DeliveredFolder() + QStringLiteral("guide/") + guideLanguage + QStringLiteral("/index.html");
}

bool TFGuide::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadToolbarCaptions(smcGuide);
    // A catalogue without a language (slUnknow) reads the Bulgarian guide, as the captions do.
    ShowGuide(GuideLanguage(CurrentLanguage == slUnknow ? slBulgarian : CurrentLanguage));
    return true;
}

void TFGuide::ShowGuide(const QString &guideLanguage)
{
    const QString page = GuidePage(guideLanguage);
    if (!QFileInfo::exists(page)) {
        tbGuide->setPlainText(msgGuideMissing.arg(page));
        return;
    }
    m_language = guideLanguage;
    tbGuide->clearHistory();
    tbGuide->setSource(QUrl::fromLocalFile(page));
}

void TFGuide::acGuideBackExecute() { tbGuide->backward(); }

void TFGuide::acGuideHomeExecute() { ShowGuide(m_language.isEmpty() ? QStringLiteral("bg") : m_language); }

void TFGuide::acGuideLanguageExecute() { ShowGuide(m_language == QLatin1String("bg") ? QStringLiteral("en") : QStringLiteral("bg")); }

void TFGuide::closeEvent(QCloseEvent *event)
{
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}
