#include "framework/MsgHandler.h"

MsgHandler::MsgHandler()
{
}

MsgHandler::~MsgHandler()
{
}
