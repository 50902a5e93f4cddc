#include "common/Failure.h"

#include <new>

namespace prurez {

bool runHandler(const FailureSink& sink, const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const Failure& failure) {
        sink(failure.message());
    } catch (const std::bad_alloc&) {
        sink("Nedostatek paměti pro výpočet.");
    } catch (const std::exception& error) {
        sink(error.what());
    }
    return false;
}

}  // namespace prurez
