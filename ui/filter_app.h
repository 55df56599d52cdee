// CFilterApp: the application object; its start-up creates the main dialog.
#pragma once

#include "platform/framework/win_app.h"

namespace sif {

class CFilterApp : public CWinApp {
  public:
    CFilterApp() = default;
    BOOL InitInstance() override;
};

// The first catalogue string the program needs that its resources lack, or 0.
unsigned FirstMissingString();

}  // namespace sif
