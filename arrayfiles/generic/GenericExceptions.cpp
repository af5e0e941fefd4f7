#include "arrayfiles/generic/GenericExceptions.h"

#include "arrayfiles/generic/DateTime.h"

namespace generic_exceptions {

GenericException::GenericException() : timeStamp_(generic_io::DateTime::GetCurrentDateTime().ToString()) {}

}  // namespace generic_exceptions
