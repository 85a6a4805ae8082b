#include "plugin/containment.h"

namespace kestrova {

Outcome FailedOutcome(const std::exception_ptr& error)
{
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const MissingMember& e) {
        ReportMissingMember(e);
        return Outcome::Failed(e.what());
    } catch (const nlohmann::json::exception& e) {
        LogError(e.what());
        return Outcome::Failed(e.what());
    } catch (const std::exception& e) {
        return Outcome::Failed(e.what());
    } catch (...) {
    }
    return Outcome::Failed("an error that is not a standard exception");
}

}  // namespace kestrova
