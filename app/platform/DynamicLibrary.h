// DynamicLibrary: a shared library loaded by file name from the program's own library
// folders, released when the object goes. The current directory is never searched, so a
// stray file there cannot stand in for the program's library.
#pragma once

#include <QString>
#include <QStringList>

class DynamicLibrary {
public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // The folders searched, in order: the program's own folder, ../lib beside it (the build
  // tree), and the installation's library folder relative to its program folder (such as
  // ../lib/x86_64-linux-gnu under /usr).
  static QStringList searchFolders();

  // Loads the library of that file name from the first search folder that holds it;
  // a library that cannot be loaded leaves the object empty.
  static DynamicLibrary load(const QString& fileName);
  // The same from the given folders only.
  static DynamicLibrary load(const QString& fileName, const QStringList& folders);

  bool isLoaded() const { return handle != nullptr; }
  // The path it was loaded from; empty when nothing is loaded.
  const QString& path() const { return loadedPath; }
  // The address of an exported symbol, or null.
  void* symbol(const char* name) const;
  // Hands the library back; the object is empty afterwards.
  void release();

private:
  void* handle = nullptr;
  QString loadedPath;
};
