#include "app/application_files.h"

#include "data/data_files.h"
#include "session/session_settings.h"

namespace olm {

ExpenseTypeBuffer& ExpenseTypeRecord() {
  static ExpenseTypeBuffer record;
  return record;
}

LinkedBuffer& LinkedRecord() {
  static LinkedBuffer record;
  return record;
}

PropertyBuffer& PropertyRecord() {
  static PropertyBuffer record;
  return record;
}

MovementBuffer& MovementRecord() {
  static MovementBuffer record;
  return record;
}

// The statuses are not looked at: the data layer ends the program itself when
// a file cannot be opened, and no FileId can be open yet at start-up.
void OpenApplicationFiles() {
  const std::string& root = Session().RootDir;
  int16_t status = 0;
  OpenDataFile(kExpenseTypeFile, root + "DADES\\TDespesa", ExpenseTypeRecord().Data(), ExpenseTypeBuffer::BufferSize(), status);
  OpenDataFile(kLinkedFile, root + "DADES\\PropietV", LinkedRecord().Data(), LinkedBuffer::BufferSize(), status);
  OpenDataFile(kPropertyFile, root + "DADES\\FinquesV", PropertyRecord().Data(), PropertyBuffer::BufferSize(), status);
  OpenDataFile(kMovementFile, root + "DADES\\PagamV", MovementRecord().Data(), MovementBuffer::BufferSize(), status);
}

// The program keeps no text file open between steps, so closing the data
// files is all there is to do.
void CloseApplicationFiles() {
  int16_t status = 0;
  CloseAllFiles(status);
}

void ResetApplicationRecords() {
  ExpenseTypeRecord().Clear();
  LinkedRecord().Clear();
  PropertyRecord().Clear();
  MovementRecord().Clear();
}

}  // namespace olm
