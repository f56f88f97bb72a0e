#include "resources/uResources.h"

#include <QtCore/QFile>
#include <stdexcept>

// A static library's resources are only registered when something pulls in
// their initialiser; doing it here means every user of LoadFromResource gets them.
static void ensureResources()
{
    static const bool once = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)once;
}

bool LoadFromResource(QImage& bitmap, const QString& name)
{
    ensureResources();
    const QString path = name.startsWith(QLatin1Char(':')) ? name : QStringLiteral(":/") + name;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Resource " + name.toStdString() + " not found");
    QImage loaded;
    if (!loaded.loadFromData(file.readAll()))
        throw std::runtime_error("Resource " + name.toStdString() + " is not a readable image");
    bitmap = loaded;
    return true;
}
