#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

namespace platform {

// The file-type registrations of the system: extension keys (".doc") name a class, and a class
// has a description. A missing key or value reads as empty text.
class TypeRegistry
{
public:
    virtual ~TypeRegistry() = default;

    // The class registered for an extension key such as ".doc"; empty when there is none.
    virtual QString className(const QString &extension) const = 0;
    // The description of a class; empty when it has none.
    virtual QString description(const QString &className) const = 0;
    // Every registered extension key (".doc", ".tar", ...), each once, in no particular order.
    virtual QStringList extensionKeys() const = 0;
};

// The shared MIME database: the class of ".doc" is the MIME type with the simple glob "*.doc"
// (same case first, then any case; of several such types the one the database prefers for a file
// named so), its description the MIME type's comment in the language of the default locale.
class MimeTypeRegistry : public TypeRegistry
{
public:
    MimeTypeRegistry();
    QString className(const QString &extension) const override;
    QString description(const QString &className) const override;
    QStringList extensionKeys() const override;

private:
    QHash<QString, QString> exactCase; // "*.C" -> "text/x-c++src"
    QHash<QString, QString> anyCase;   // lower-case glob -> the preferred MIME type with it
    QStringList keys;
};

// A fixed table of registrations, for tests.
class TableTypeRegistry : public TypeRegistry
{
public:
    // Registers an extension key under a class; an empty class leaves the key without a class.
    void addExtension(const QString &extension, const QString &className);
    void addClass(const QString &className, const QString &description);

    QString className(const QString &extension) const override;
    QString description(const QString &className) const override;
    QStringList extensionKeys() const override;

private:
    QHash<QString, QString> classes;      // lower-case extension -> class
    QHash<QString, QString> descriptions; // lower-case class -> description
    QStringList keys;
};

// The registry of the program: the MIME database unless a test installed another.
const TypeRegistry &typeRegistry();
// Installs a registry (tests); nullptr puts the MIME database back.
void setTypeRegistry(std::unique_ptr<TypeRegistry> registry);

} // namespace platform
