#pragma once
// A companion library opened for one use: loaded by its full path, closed when this object goes.
#include <QString>

class CompanionLibrary {
public:
    explicit CompanionLibrary(const QString &path);
    ~CompanionLibrary();
    CompanionLibrary(const CompanionLibrary &) = delete;
    CompanionLibrary &operator=(const CompanionLibrary &) = delete;

    bool isLoaded() const { return m_handle != nullptr; }
    // The loader's reason when loading failed, or when the last lookup found nothing.
    QString errorText() const { return m_error; }

    // The exported function `name` as type F, or nullptr.
    template <typename F>
    F function(const char *name) { return reinterpret_cast<F>(symbol(name)); }

private:
    void *symbol(const char *name);

    void *m_handle = nullptr;
    QString m_error;
};
