#include "UImageList.h"

#include <QHash>

// The pictures live in the core library's resources, which a static library must register.
static void registerPictures() { Q_INIT_RESOURCE(images); }

QIcon ImageList::Icon(int index)
{
    if (index < 0 || index >= Count)
        return {};
    static QHash<int, QIcon> cache;
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    auto found = cache.find(index);
    if (found == cache.end())
        found = cache.insert(index, QIcon(QStringLiteral(":/ImageList/%1").arg(index)));
    return found.value();
}
