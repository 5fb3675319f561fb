#include "e2e_link.h"

#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "Pripojeni.h"

QString open_through_dialog(TData& data) {
    NastavAdresarOvladacu(QString());
    TForm2 dialog;
    dialog.Data = &data;
    dialog.show();
    dialog.Button1Click();
    return dialog.Panel1->text();
}

void close_link_and_driver(TData& data) {
    if (SpojeniOtevreno(&data)) {
        uint32_t handle = data.Handle;
        OvladacDone(data.Rozhrani, handle);
        data.Handle = handle;
        data.Pripojeno = false;
    }
    OvladacUvolni();
}
