#include "common/null_ui.hpp"

#include <type_traits>

namespace pellora {

// Every question added to the Ui needs its default answer here.
static_assert(!std::is_abstract_v<NullUi>, "NullUi must answer every question of the Ui");

}  // namespace pellora
