#pragma once
// The installer's application object: checks the platform family, runs the
// setup dialog once and ends the process.
#include <string>

#include "framework/app.h"

class SetupApp : public CWinApp {
public:
    SetupApp() = default;
    ~SetupApp() override = default;

    bool InitInstance() override;

    // 1 for the Windows 95/98 family, 2 for the NT family; set before the
    // setup dialog exists and never changed afterwards.
    int m_platformKind = 0;
};

// The running installer's application object.
SetupApp& TheSetupApp();

// The main program's file name: it names the App Paths entry.
extern const std::string MainProgramName;
