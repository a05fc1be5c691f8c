#include "col/_array/ArrayS08.h"

#include "comp/CompS08.h"

namespace s::col::_array {

const s::base::IComparator* ArrayS08::getComparator() const {
  return &s::comp::CompS08::instance();
}

}  // namespace s::col::_array
