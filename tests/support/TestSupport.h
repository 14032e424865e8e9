#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <ostream>

// Lets failed expectations show texts as text rather than as lists of bytes.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace korvel::test {

// Pins the default locale for one test and puts the previous one back afterwards.
class LocaleGuard
{
public:
    explicit LocaleGuard(const QLocale &locale) : saved(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(saved); }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

private:
    QLocale saved;
};

// A locale with "," for thousands and "." for decimals, and one with "." and ",".
QLocale commaLocale();
QLocale dotLocale();

// A file below the project's own tests folder.
QString testDataPath(const QString &relative);

// Everything a file holds; empty when it cannot be read.
QByteArray fileBytes(const QString &path);

// The text of a printed PDF, its columns kept apart by spaces when keepLayout is set; pages end
// with a form feed.
QString pdfText(const QString &path, bool keepLayout = false);

// The least distance, in millimetres, from any word printed in a PDF to the edge of its paper;
// -1 when the file holds no words.
double pdfLeastTextMarginMm(const QString &path);

} // namespace korvel::test
