#include "toolkit/Resources.h"

#include <QtGlobal>

void ensureResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(zadanix);
        return true;
    }();
    Q_UNUSED(registered);
}
