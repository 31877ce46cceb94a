#include "CompanionLibrary.h"

#include <QFile>
#include <dlfcn.h>

namespace {

QString lastLoaderError()
{
    const char *text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QString();
}

} // namespace

CompanionLibrary::CompanionLibrary(const QString &path)
{
    dlerror();
    m_handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle)
        m_error = lastLoaderError();
}

CompanionLibrary::~CompanionLibrary()
{
    if (m_handle)
        dlclose(m_handle);
}

void *CompanionLibrary::symbol(const char *name)
{
    if (!m_handle)
        return nullptr;
    dlerror();
    void *address = dlsym(m_handle, name);
    if (!address)
        m_error = lastLoaderError();
    return address;
}
