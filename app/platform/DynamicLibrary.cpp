#include "DynamicLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>
#include <utility>

DynamicLibrary::~DynamicLibrary() {
  release();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle(std::exchange(other.handle, nullptr)), loadedPath(std::move(other.loadedPath)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    release();
    handle = std::exchange(other.handle, nullptr);
    loadedPath = std::move(other.loadedPath);
  }
  return *this;
}

QStringList DynamicLibrary::searchFolders() {
  const QString programFolder = QCoreApplication::applicationDirPath();
  QStringList folders{programFolder, QDir::cleanPath(programFolder + QStringLiteral("/../lib"))};
  const QString installed = QDir::cleanPath(programFolder + QLatin1Char('/') +
                                            QStringLiteral(KURVO_INSTALLED_LIBRARY_FOLDER));
  if (!folders.contains(installed)) folders << installed;
  return folders;
}

DynamicLibrary DynamicLibrary::load(const QString& fileName) {
  return load(fileName, searchFolders());
}

DynamicLibrary DynamicLibrary::load(const QString& fileName, const QStringList& folders) {
  DynamicLibrary library;
  for (const QString& folder : folders) {
    // Only absolute paths: a relative one would be found through the current directory.
    if (!QDir::isAbsolutePath(folder)) continue;
    const QString path = QDir(folder).filePath(fileName);
    if (!QFileInfo(path).isFile()) continue;
    library.handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (library.handle) {
      library.loadedPath = path;
      break;
    }
  }
  return library;
}

void* DynamicLibrary::symbol(const char* name) const {
  return handle ? dlsym(handle, name) : nullptr;
}

void DynamicLibrary::release() {
  if (handle) dlclose(handle);
  handle = nullptr;
  loadedPath.clear();
}
