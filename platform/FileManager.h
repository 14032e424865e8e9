#pragma once

#include <QByteArray>
#include <functional>

class QDBusConnection;

namespace platform {

// Shows a folder (its absolute path, bytes as the file system holds them) in the desktop's file
// manager: asked through the freedesktop file-manager interface on the session bus, or, where no
// file manager answers there, by opening the folder with the desktop's handler for folders
// (openUrl). The answer comes later, on the thread's event loop: done learns whether either way
// worked. The window goes on meanwhile; a file manager that must start first can take seconds.
void showFolder(const QByteArray &path, std::function<void(bool shown)> done = {});

// Shows a file (its absolute path, as bytes) picked out in its folder in the desktop's file
// manager, through the same interface; where no file manager answers, the desktop's handler opens
// the folder it lies in.
void showFile(const QByteArray &path, std::function<void(bool shown)> done = {});

// The folder's address as a file manager takes it: file:// and the path, its bytes percent-encoded
// where an address may not hold them as they are.
QByteArray folderAddress(const QByteArray &path);

// Tests ask on a bus of their own; nothing puts the session bus back.
void setFileManagerBus(const QDBusConnection &bus);

} // namespace platform
