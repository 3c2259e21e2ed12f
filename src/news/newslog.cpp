#include "news/newslog.h"

Q_LOGGING_CATEGORY(lcNews, "octetry.news")
