#include "framework/DialogHandler.h"

DialogHandler::DialogHandler()
{
}

DialogHandler::~DialogHandler()
{
}
