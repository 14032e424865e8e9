#pragma once

#include <QString>

// The start of the window system. When Qt can reach no display it prints a paragraph about
// reinstalling the program and aborts; instead, the program says in one line which display it
// could not reach and ends with exit status 1. Qt's other messages of the start are held back
// meanwhile, to word that line from them, and passed on as Qt would have once the start has
// succeeded.
class DisplayStart
{
public:
    // platform: the window system chosen on the command line or in QT_QPA_PLATFORM, or empty.
    explicit DisplayStart(const QString &platform);
    ~DisplayStart();
    DisplayStart(const DisplayStart &) = delete;
    DisplayStart &operator=(const DisplayStart &) = delete;

    // The application object exists: hand Qt's messages back to Qt.
    void done();

private:
    bool active = true;
};
