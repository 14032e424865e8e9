#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What fuzz targets share: reading the fuzzer's bytes as a few choices followed by data, and a
// check that stops at once, so that the fuzzer keeps the input that broke a rule.

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace korvel::fuzz {

class FuzzInput
{
public:
    FuzzInput(const std::uint8_t *data, std::size_t size)
        : bytes(reinterpret_cast<const char *>(data), qsizetype(size))
    {}

    // One byte of choice; 0 once the input is used up.
    std::uint8_t byte() { return at < bytes.size() ? std::uint8_t(bytes[at++]) : 0; }
    // A number from 0 to below - 1.
    int choice(int below) { return byte() % below; }
    // The bytes up to the next stop byte (which is passed over), or to the end.
    QByteArray upTo(char stop)
    {
        qsizetype end = bytes.indexOf(stop, at);
        if (end < 0)
            end = bytes.size();
        const QByteArray part = bytes.mid(at, end - at);
        at = end + 1;
        return part;
    }
    QByteArray rest()
    {
        const QByteArray part = bytes.mid(at);
        at = bytes.size();
        return part;
    }
    bool atEnd() const { return at >= bytes.size(); }

private:
    QByteArray bytes;
    qsizetype at = 0;
};

// Locales that differ where the readers care: group and decimal separators (comma, dot, blank,
// narrow no-break space, apostrophe), signs and digits of other scripts.
inline QLocale pickLocale(std::uint8_t choice)
{
    static const QList<QLocale> locales = {
        QLocale::c(),     QLocale("en_US"), QLocale("de_DE"), QLocale("fr_FR"), QLocale("de_CH"),
        QLocale("ar_EG"), QLocale("fa_IR"), QLocale("hi_IN"), QLocale("sv_SE"), QLocale("he_IL"),
    };
    return locales[choice % locales.size()];
}

} // namespace korvel::fuzz
