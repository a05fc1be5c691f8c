#include "col/_array/ArrayU32.h"

#include "comp/CompU32.h"

namespace s::col::_array {

const s::base::IComparator* ArrayU32::getComparator() const {
  return &s::comp::CompU32::instance();
}

}  // namespace s::col::_array
