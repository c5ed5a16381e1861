// The two process-wide objects, defined together so that their order is fixed:
// pendingCreation is constructed first and destroyed last.
#include "app/AppModule.h"
#include "app/PendingCreation.h"

PendingCreation pendingCreation;
AppModule appModule;
