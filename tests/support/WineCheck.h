#pragma once

// Wine provides some behaviours of the platform differently; tests of those say so.
bool RunningUnderWine();
