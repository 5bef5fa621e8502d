#pragma once

#include <QByteArray>
#include <QString>

// Appends whole lines to a file that is only ever added to (a journal, a log). Each line
// goes in one write; when the system takes only part of it (a full disk, a file size
// limit), the file is cut back to where the line began, so that the next line never
// continues a half one. A pipe or device (a terminal, /dev/stderr) is written to as it is.
class OvLineAppender {
public:
    // Where the file is: given by the user (a link is followed unless OvRefusedLink refuses
    // it, a pipe or device written to), or a file of the program's own in its private state folder (no link
    // is followed, only a regular file is taken, never waiting on a pipe, created 0600).
    enum class Place { UserGiven, Private };

    explicit OvLineAppender(QString fileName, Place place = Place::UserGiven);
    ~OvLineAppender();
    OvLineAppender(const OvLineAppender&) = delete;
    OvLineAppender& operator=(const OvLineAppender&) = delete;

    // Opens the file for appending, created when missing; false with Error() set.
    bool Open();
    // Appends line and a line end; false with Error() set, the file as it was before.
    bool Append(const QByteArray& line);
    // Why the last step failed ("No space left on device").
    const QString& Error() const { return Reason; }
    const QString& FileName() const { return Name; }
    // The open file's descriptor, -1 when closed (for its size on disk and locks).
    int Descriptor() const { return Fd; }
    void Close();

private:
    bool Failed(int error);

    QString Name;
    Place Where;
    QString Reason;
    int Fd = -1;
    bool Regular = false; // a file, which can be cut back
};
