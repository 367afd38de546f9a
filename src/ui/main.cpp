// The Orvella desktop app; all of it lives in the orvella_ui library.
#include "ui/orvella_app.h"

int main(int argc, char** argv) { return orv::COrvellaApp(argc, argv).Run(); }
