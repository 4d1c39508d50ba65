#include "domain/domain_facade.h"

#include "engine/write_time.h"

namespace dez::trelix {

void DomainFacade::update_build_time() {
    build_time = write_time_in_seconds(sqlite_filename);
}

} // namespace dez::trelix
