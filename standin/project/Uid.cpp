#include "project/Uid.h"

#include <atomic>

namespace standin {

quint64 newUid()
{
    static std::atomic<quint64> next{1};
    return next.fetch_add(1);
}

} // namespace standin
