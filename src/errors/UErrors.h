#pragma once
// The program's general error class and its kinds. Every error the program raises derives
// from Exception, so that windows can catch them in one place and show the message.

#include <QString>
#include <exception>

class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &Message() const { return m_message; }
    virtual QString ClassName() const { return QStringLiteral("Exception"); }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

#define KALV_ERROR_CLASS(Name, Base)                                                                               \
    class Name : public Base                                                                                       \
    {                                                                                                              \
    public:                                                                                                        \
        using Base::Base;                                                                                          \
        QString ClassName() const override { return QStringLiteral(#Name); }                                       \
    };

KALV_ERROR_CLASS(ERegistryException, Exception)
KALV_ERROR_CLASS(EIniFileException, Exception)
KALV_ERROR_CLASS(EConvertError, Exception)
KALV_ERROR_CLASS(EInOutError, Exception)
