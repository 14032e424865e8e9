#include "model/JsonText.h"

#include <QJsonArray>
#include <QJsonDocument>

QByteArray jsonText(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}
