// The one application object of the window program.
#include "ui/filter_app.h"

sif::CFilterApp theApp;
