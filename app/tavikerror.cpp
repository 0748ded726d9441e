#include "app/tavikerror.h"

TavikError::TavikError(QString message)
    : message_(std::move(message))
    , utf8_(message_.toUtf8()) {}
