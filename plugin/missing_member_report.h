// The log of members the game lacks, as commands find them: once a minute for
// each member at most, however many commands fail for it.
#pragma once

#include "host/missing_member.h"

namespace kestrova {

void ReportMissingMember(const MissingMember& missing) noexcept;

// At load, which names every missing member anew: the next use of each is told
// again.
void ResetMissingMemberReports() noexcept;

}  // namespace kestrova
