#pragma once
// The rooms register: a room of a hotel with its service, price, tariff and counts.

#include "framework/URegister.h"

class TRadioGroup;

class TFNomStai : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomStai(QWidget *parent = nullptr);

    void acFNomStaiSaveExecute();
    void acFNomStaiCloseExecute();

    QAction *acFNomStaiSave, *acFNomStaiClose;
    TTabSheet *tsNomenclatureRoomsConfig, *tsNomenclatureRoomsTypes, *tsNomenclatureRoomsWorks;
    QGroupBox *gbNomenclatureRoomsData, *gbNomenclatureRoomsDataType, *gbNomenclatureRoomsHotelChoose;
    QLineEdit *Edit5, *Edit1, *Edit2, *Edit3;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3;
    // The VAT rate of the room's price (empty: accommodation's).
    QComboBox *ComboBoxVat;
    // The room's type as rate plans price it (empty: of its number of beds).
    QComboBox *ComboBoxRoomType;
    TRadioGroup *rgNomenclatureRoomsLock;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM Rooms "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
};
