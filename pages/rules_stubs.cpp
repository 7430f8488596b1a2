// Rules still to be filled in.
#include "pages/formbase.h"

namespace q7x::pages {

void FormBase::ReleControl1Change(QWidget *) {
}
void FormBase::ReleWorkMode1Click(QWidget *) {
}
void FormBase::SpecModeRele(QWidget *) {
}
void FormBase::ObjNmbClick(QWidget *) {
}
void FormBase::ObjNmbCl(QWidget *) {
}
void FormBase::RzdNmbChange(QWidget *) {
}
void FormBase::DistanceControl(QWidget *) {
}
void FormBase::PasswordChange(QWidget *) {
}
void FormBase::PasswordSave(QWidget *) {
}
void FormBase::PasswordExit(QWidget *) {
}
void FormBase::CommandRepeat(QWidget *) {
}
void FormBase::ConnectTimeConfrmEnabl(QWidget *) {
}
void FormBase::TypeMesgClick(QWidget *) {
}
void FormBase::TypeMesgLineChange(QWidget *) {
}
void FormBase::LinePhoneChange(QWidget *) {
}
void FormBase::LinePhoneExit(QWidget *) {
}
void FormBase::LinePhone1Click(QWidget *) {
}
void FormBase::RequestBalanceChange(QWidget *) {
}
void FormBase::RequestBalanceExit(QWidget *) {
}
void FormBase::PinCodeClick(QWidget *) {
}
void FormBase::SMSphoneClick(QWidget *) {
}
void FormBase::DigExit(QWidget *) {
}
void FormBase::Dig13Exit(QWidget *) {
}
void FormBase::Edit1Change(QWidget *) {
}
void FormBase::Edit1Exit(QWidget *) {
}
void FormBase::ChangeOwnName(QWidget *) {
}
void FormBase::OwnNameChange(QWidget *) {
}
void FormBase::OwnNameLengnh(QWidget *) {
}

} // namespace q7x::pages
