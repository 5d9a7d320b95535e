#pragma once
// The user guide: the delivered HTML pages in Bulgarian or English, shown with their pictures,
// their links followed, and a switch to the other language of the guide.

#include "framework/UMainLibraryClass.h"
#include "startup/UConstMessagesHotel.h"

class QAction;
class QTextBrowser;
class TFormInfo;
class TKalvMenuControl;

class TFGuide : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFGuide(QWidget *parent = nullptr);

    bool InitializeWindow() override;
    // "bg" or "en": the guide in the operator's language, English for Russian.
    static QString GuideLanguage(TLanguage language);
    static QString GuidePage(const QString &guideLanguage);
    void ShowGuide(const QString &guideLanguage);
    QString ShownLanguage() const { return m_language; }

    void acGuideBackExecute();
    void acGuideHomeExecute();
    void acGuideLanguageExecute();

    TKalvMenuControl *smcGuide;
    QAction *acGuideBack, *acGuideHome, *acGuideLanguage, *acClose;
    QTextBrowser *tbGuide;
    TFormInfo *FormInfo1;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString m_language;
};
