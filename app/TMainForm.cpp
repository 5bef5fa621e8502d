#include "TMainForm.h"

#include "OvFeedback.h"
#include "OvSNMPSession.h"

#include <QCoreApplication>
#include <QMetaObject>

TMainForm::TMainForm(const QStringList& arguments, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromLatin1(DesignCaption));

    TSNMPSession::Create(QString());

    if (arguments.isEmpty()) {
        NoParameters = true;
        OvFeedback::MessageBox(this, OvFeedback::ProgramFileName(), QStringLiteral("No parameter input"));
        // Ends the program as soon as the message loop runs.
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
        return;
    }

    TLaunchTexts texts;
    OvParseLaunchOptions(arguments, TSNMPSession::DefaultTarget(), texts);
    AddressText = texts.AddressText;
    ReadCommunityText = texts.ReadCommunityText;
    WriteCommunityText = texts.WriteCommunityText;
    LaunchTypeText = texts.LaunchTypeText;
    setWindowTitle(QString::fromLatin1(DesignCaption) + QStringLiteral(" : ") + AddressText);
}

TMainForm::~TMainForm() = default;
