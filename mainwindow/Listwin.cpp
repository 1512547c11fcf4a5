#include "mainwindow/Listwin.h"
