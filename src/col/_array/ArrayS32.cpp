#include "col/_array/ArrayS32.h"

#include "comp/CompS32.h"

namespace s::col::_array {

const s::base::IComparator* ArrayS32::getComparator() const {
  return &s::comp::CompS32::instance();
}

}  // namespace s::col::_array
