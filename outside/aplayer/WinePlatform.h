#pragma once
// Whether the engine runs under Wine, whose Media Foundation has faults that
// the engine works around (see where this is asked).

namespace qova::aplayer {

// True under Wine (its ntdll exports wine_get_version); false on Windows.
bool runningOnWine();

}  // namespace qova::aplayer
