#include "UNomGosti.h"

#include "desk/UCountries.h"
#include "desk/URights.h"

#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

namespace {

constexpr int kListed = 500;  // the newest guests the list shows

QString dayText(const QDate &day) { return day.isValid() ? day.toString(QStringLiteral("dd.MM.yyyy")) : QString(); }

QStringList countryNames()
{
    QStringList names;
    for (const Countries::TCountry &country : Countries::All())
        names.append(country.Name());
    names.sort(Qt::CaseInsensitive);
    return names;
}

QString countryName(const QString &code)
{
    const std::optional<Countries::TCountry> country = Countries::Find(code);
    return country ? country->Name() : code;
}

} // namespace

TFNomGosti::TFNomGosti(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomGosti"), parent)
{
    resize(900, 620);
    Placement()->SetDesignedSize(size());
    acFNomGostiSave = AddCommand(QStringLiteral("tbSave"), QStringLiteral("acFNomGostiSave"), QStringLiteral("Запис"),
                                 [this] { acFNomGostiSaveExecute(); });
    acFNomGostiNew = AddCommand(QStringLiteral("tbNew"), QStringLiteral("acFNomGostiNew"), QStringLiteral("Нов гост"),
                                [this] { acFNomGostiNewExecute(); });
    acClose = AddCommand(QStringLiteral("tbClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcGosti"));
    Grid()->setObjectName(QStringLiteral("DBGridGosti"));

    tsGostPerson = AddSheet(QStringLiteral("tsGostPerson"), QStringLiteral("Лице"));
    gbGostPerson = AddGroupBox(tsGostPerson, QStringLiteral("gbGostPerson"), QStringLiteral("Гост"));
    const auto edit = [this](QGroupBox *box, const char *label, const char *caption, const char *name) {
        return AddEdit(box, QLatin1String(label), QString::fromUtf8(caption), QLatin1String(name));
    };
    const auto choice = [this](QGroupBox *box, const char *label, const char *caption, const char *name,
                               const QStringList &items) {
        auto *combo = new QComboBox(box);
        combo->setObjectName(QLatin1String(name));
        combo->addItems(items);
        PlaceRow(box, combo, AddLabel(box, QLatin1String(label), QString::fromUtf8(caption)));
        return combo;
    };
    edGostId = edit(gbGostPerson, "lGostId", "ИД", "edGostId");
    edGostId->setReadOnly(true);
    edGostName = edit(gbGostPerson, "lGostName", "Име", "edGostName");
    edGostLatinName = edit(gbGostPerson, "lGostLatinName", "Име на латиница", "edGostLatinName");
    cbGostSex = choice(gbGostPerson, "lGostSex", "Пол", "cbGostSex", {msgSexUnknown, msgSexMale, msgSexFemale});
    edGostBorn = edit(gbGostPerson, "lGostBorn", "Дата на раждане", "edGostBorn");
    edGostBorn->setPlaceholderText(QStringLiteral("дд.мм.гггг"));
    cbGostCitizenship = AddLookupBox(gbGostPerson, QStringLiteral("lGostCitizenship"), QStringLiteral("Гражданство"),
                                     QStringLiteral("cbGostCitizenship"), [] { return countryNames(); });
    edGostPersonalNumber = edit(gbGostPerson, "lGostPersonalNumber", "ЕГН / ЛНЧ", "edGostPersonalNumber");
    gbGostContact = AddGroupBox(tsGostPerson, QStringLiteral("gbGostContact"), QStringLiteral("Връзка"));
    edGostAddress = edit(gbGostContact, "lGostAddress", "Адрес", "edGostAddress");
    edGostPhone = edit(gbGostContact, "lGostPhone", "Телефон", "edGostPhone");
    edGostEmail = edit(gbGostContact, "lGostEmail", "Електронна поща", "edGostEmail");
    edGostNote = edit(gbGostContact, "lGostNote", "Бележка", "edGostNote");
    chkGostKeep = new QCheckBox(QStringLiteral("Съгласие данните да се пазят"), gbGostContact);
    chkGostKeep->setObjectName(QStringLiteral("chkGostKeep"));
    PlaceRow(gbGostContact, chkGostKeep);
    chkGostMessages = new QCheckBox(QStringLiteral("Съгласие за съобщения"), gbGostContact);
    chkGostMessages->setObjectName(QStringLiteral("chkGostMessages"));
    PlaceRow(gbGostContact, chkGostMessages);

    tsGostDocument = AddSheet(QStringLiteral("tsGostDocument"), QStringLiteral("Документ"));
    gbGostDocument = AddGroupBox(tsGostDocument, QStringLiteral("gbGostDocument"), QStringLiteral("Документ за самоличност"));
    cbGostDocumentKind = choice(gbGostDocument, "lGostDocumentKind", "Вид", "cbGostDocumentKind",
                                {msgDocumentIdentityCard, msgDocumentPassport, msgDocumentOther});
    edGostDocumentNumber = edit(gbGostDocument, "lGostDocumentNumber", "Номер", "edGostDocumentNumber");
    edGostDocumentSeries = edit(gbGostDocument, "lGostDocumentSeries", "Серия", "edGostDocumentSeries");
    cbGostIssuedBy = AddLookupBox(gbGostDocument, QStringLiteral("lGostIssuedBy"), QStringLiteral("Издаден от"),
                                  QStringLiteral("cbGostIssuedBy"), [] { return countryNames(); });
    edGostValidTo = edit(gbGostDocument, "lGostValidTo", "Валиден до", "edGostValidTo");
    edGostValidTo->setPlaceholderText(QStringLiteral("дд.мм.гггг"));

    tsGostPrivacy = AddSheet(QStringLiteral("tsGostPrivacy"), QStringLiteral("Лични данни"));
    gbGostPrivacy = AddGroupBox(tsGostPrivacy, QStringLiteral("gbGostPrivacy"), QStringLiteral("Лични данни"));
    const auto button = [this](const char *name, const QString &caption) {
        auto *made = new QPushButton(caption, gbGostPrivacy);
        made->setObjectName(QLatin1String(name));
        PlaceRow(gbGostPrivacy, made);
        return made;
    };
    btnGostMerge = button("btnGostMerge", capGuestMerge);
    btnGostExport = button("btnGostExport", capGuestExport);
    edGostAnonymiseReason = new QLineEdit(gbGostPrivacy);
    edGostAnonymiseReason->setObjectName(QStringLiteral("edGostAnonymiseReason"));
    PlaceRow(gbGostPrivacy, edGostAnonymiseReason, AddLabel(gbGostPrivacy, QStringLiteral("lGostAnonymiseReason"), lblGuestAnonymiseReason));
    btnGostAnonymise = button("btnGostAnonymise", capGuestAnonymise);
    connect(btnGostMerge, &QPushButton::clicked, this, [this] { MergeChosen(); });
    connect(btnGostAnonymise, &QPushButton::clicked, this, [this] { AnonymiseShown(); });
    connect(btnGostExport, &QPushButton::clicked, this, [this] {
        if (edGostId->text().toInt() <= 0) {
            TSystemWinOS::ShowMessageBox(msgGuestChooseFirst, msgWarningTitle, 48);
            return;
        }
        const QString path = QFileDialog::getSaveFileName(
            this, windowTitle(), QDir::home().filePath(edGostName->text().simplified() + QStringLiteral(".txt")), msgTextFilter);
        if (!path.isEmpty())
            SaveGuestData(path);
    });
    Pages()->setCurrentWidget(tsGostPerson);
    ShowRights();
}

// Documents and personal numbers, giving out and anonymising are for those who may see them.
void TFNomGosti::ShowRights()
{
    const bool documents = Rights::Has(Rights::rGuestDocuments);
    Pages()->setTabVisible(Pages()->indexOf(tsGostDocument), documents);
    edGostPersonalNumber->setReadOnly(!documents);
    for (QWidget *control : std::initializer_list<QWidget *>{btnGostExport, btnGostAnonymise, edGostAnonymiseReason})
        control->setEnabled(documents);
    btnGostMerge->setEnabled(Rights::Has(Rights::rRegisters));
}

void TFNomGosti::MergeChosen()
{
    const int kept = edGostId->text().toInt();
    const QModelIndex current = Grid()->currentIndex();
    const QVariant other = current.isValid() ? ListValue(current.row(), QStringLiteral("q252")) : QVariant();
    if (kept <= 0) {
        TSystemWinOS::ShowMessageBox(msgGuestChooseFirst, msgWarningTitle, 48);
        return;
    }
    if (other.isNull() || !other.isValid() || other.toInt() == kept) {
        TSystemWinOS::ShowMessageBox(msgGuestChooseOther, msgWarningTitle, 48);
        return;
    }
    const QString otherName = ListValue(current.row(), QStringLiteral("q253")).toString().trimmed();
    if (TSystemWinOS::ShowMessageBox(msgGuestMergeAsk.arg(other.toInt()).arg(otherName).arg(kept).arg(edGostName->text()),
                                     msgUserChoiceTitle, 4 | 32) != TSystemWinOS::IDYES)
        return;
    try {
        Guests::Merge(kept, other.toInt());
        ShowGuest(kept);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(error.Message(), msgWarningTitle, 48);
    }
    ReloadList();
}

void TFNomGosti::AnonymiseShown()
{
    const int guest = edGostId->text().toInt();
    if (guest <= 0) {
        TSystemWinOS::ShowMessageBox(msgGuestChooseFirst, msgWarningTitle, 48);
        return;
    }
    if (edGostAnonymiseReason->text().trimmed().isEmpty()) {
        MarkControlFailed(edGostAnonymiseReason);
        TSystemWinOS::ShowMessageBox(msgGuestAnonymiseReason, msgWarningTitle, 48);
        return;
    }
    if (TSystemWinOS::ShowMessageBox(msgGuestAnonymiseAsk.arg(edGostName->text()), msgUserChoiceTitle, 4 | 32) !=
        TSystemWinOS::IDYES)
        return;
    try {
        Guests::Anonymise(guest, edGostAnonymiseReason->text());
        edGostAnonymiseReason->clear();
        ShowGuest(guest);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(error.Message(), msgWarningTitle, 48);
    }
    ReloadList();
}

bool TFNomGosti::SaveGuestData(const QString &path)
{
    try {
        const QString text = Guests::ExportData(edGostId->text().toInt());
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(text.toUtf8());
            if (file.commit())
                return true;
        }
        TSystemWinOS::ShowMessageBox(msgFileNotWritten.arg(path), msgWarningTitle, 48);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(error.Message(), msgWarningTitle, 48);
    }
    return false;
}

QString TFNomGosti::ListSql() const
{
    return LocalConnection().Engine().FirstRows(
        QStringLiteral("SELECT q252, q253, q256, q257, q28, q259, q134 FROM Gosti ORDER BY q252 DESC"), kListed);
}

QList<TGridColumn> TFNomGosti::GridColumns() const
{
    return {{"q252", colID, 60},
            {"q253", colClientName, 220},
            {"q256", colBirthDate, 100, false, [](const TField &f) { return dayText(f.AsDate()); }},
            {"q257", colCitizenship, 140, false, [](const TField &f) { return countryName(f.AsString().trimmed()); }},
            {"q28", colPersonalNumber, 110},
            {"q259", colDocumentNumberShort, 110},
            {"q134", colAddress, 220}};
}

void TFNomGosti::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
    for (QGroupBox *box : {gbGostPerson, gbGostContact, gbGostDocument, gbGostPrivacy}) {
        LoadContainerCaptions(box);
        FitRows(box);
    }
}

void TFNomGosti::RowChosen(int row)
{
    const QVariant key = ListValue(row, QStringLiteral("q252"));
    if (!key.isNull() && key.isValid())
        ShowGuest(key.toInt());
}

void TFNomGosti::Show(const Guests::TGuest &guest)
{
    edGostId->setText(guest.Id > 0 ? QString::number(guest.Id) : QString());
    edGostName->setText(guest.Name);
    edGostLatinName->setText(guest.LatinName);
    cbGostSex->setCurrentIndex(guest.Sex);
    edGostBorn->setText(dayText(guest.Born));
    cbGostCitizenship->setEditText(guest.Citizenship.isEmpty() ? QString() : countryName(guest.Citizenship));
    edGostPersonalNumber->setText(guest.PersonalNumber);
    edGostAddress->setText(guest.Address);
    edGostPhone->setText(guest.Phone);
    edGostEmail->setText(guest.Email);
    edGostNote->setText(guest.Note);
    chkGostKeep->setChecked(guest.KeepConsent);
    chkGostMessages->setChecked(guest.MessagesConsent);
    cbGostDocumentKind->setCurrentIndex(guest.DocumentKind);
    edGostDocumentNumber->setText(guest.DocumentNumber);
    edGostDocumentSeries->setText(guest.DocumentSeries);
    cbGostIssuedBy->setEditText(guest.IssuedBy.isEmpty() ? QString() : countryName(guest.IssuedBy));
    edGostValidTo->setText(dayText(guest.ValidTo));
}

// The fields as typed; a date that is not a date is marked and said.
Guests::TGuest TFNomGosti::Typed(bool *datesRead)
{
    Guests::TGuest guest;
    guest.Id = edGostId->text().toInt();
    guest.Name = edGostName->text();
    guest.LatinName = edGostLatinName->text();
    guest.Sex = cbGostSex->currentIndex();
    guest.Citizenship = cbGostCitizenship->currentText();
    guest.PersonalNumber = edGostPersonalNumber->text();
    guest.Address = edGostAddress->text();
    guest.Phone = edGostPhone->text();
    guest.Email = edGostEmail->text();
    guest.Note = edGostNote->text();
    guest.KeepConsent = chkGostKeep->isChecked();
    guest.MessagesConsent = chkGostMessages->isChecked();
    guest.DocumentKind = cbGostDocumentKind->currentIndex();
    guest.DocumentNumber = edGostDocumentNumber->text();
    guest.DocumentSeries = edGostDocumentSeries->text();
    guest.IssuedBy = cbGostIssuedBy->currentText();
    *datesRead = true;
    for (const auto &[field, day] : {std::pair<QLineEdit *, QDate *>{edGostBorn, &guest.Born}, {edGostValidTo, &guest.ValidTo}}) {
        const QString text = field->text().trimmed();
        *day = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
        if (!text.isEmpty() && !day->isValid() && *datesRead) {
            *datesRead = false;
            MarkControlFailed(field);
            TSystemWinOS::ShowMessageBox(msgDateInvalid.arg(text), msgWarningTitle, 48);
        }
    }
    return guest;
}

QWidget *TFNomGosti::FieldOf(Guests::TField field) const
{
    switch (field) {
    case Guests::gfName: return edGostName;
    case Guests::gfBorn: return edGostBorn;
    case Guests::gfCitizenship: return cbGostCitizenship;
    case Guests::gfIssuedBy: return cbGostIssuedBy;
    case Guests::gfPersonalNumber: return edGostPersonalNumber;
    case Guests::gfEmail: return edGostEmail;
    case Guests::gfValidTo: return edGostValidTo;
    }
    return edGostName;
}

void TFNomGosti::acFNomGostiSaveExecute()
{
    bool datesRead = false;
    Guests::TGuest guest = Typed(&datesRead);
    if (!datesRead)
        return;
    if (const std::optional<Guests::TFault> fault = Guests::Check(guest)) {
        Pages()->setCurrentWidget(FieldOf(fault->Field)->parentWidget()->parentWidget());
        MarkControlFailed(FieldOf(fault->Field));
        TSystemWinOS::ShowMessageBox(fault->Message, msgWarningTitle, 48);
        return;
    }
    int saved = 0;
    try {
        saved = Guests::Save(guest);
        Show(*Guests::Read(saved));
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(error.Message(), msgWarningTitle, 48);
    }
    ReloadList();
    if (saved > 0)
        emit Saved(saved);
}

void TFNomGosti::ShowGuest(int guest)
{
    try {
        if (const std::optional<Guests::TGuest> read = Guests::Read(guest))
            Show(*read);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessage(error.Message());
    }
}

void TFNomGosti::StartNew(const QString &name)
{
    acFNomGostiNewExecute();
    edGostName->setText(name.trimmed());
}

void TFNomGosti::acFNomGostiNewExecute()
{
    Show(Guests::TGuest());
    FocusFirstField();
}
