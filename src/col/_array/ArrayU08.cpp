#include "col/_array/ArrayU08.h"

#include "comp/CompU08.h"

namespace s::col::_array {

const s::base::IComparator* ArrayU08::getComparator() const {
  return &s::comp::CompU08::instance();
}

}  // namespace s::col::_array
