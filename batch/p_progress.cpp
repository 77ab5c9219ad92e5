#include "batch/p_progress.h"

Tprogress::Tprogress(Tmain &main, QWidget *parent) : QDialog(parent), main_(main)
{
    setObjectName("progress");
}
