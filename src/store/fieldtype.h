#pragma once

namespace store {

enum class FieldType { AutoInc, Integer, Char, Boolean, Date, Time, Memo, Graphic };

} // namespace store
