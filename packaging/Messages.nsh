; The uninstaller's own message, in each shipped language that has it (English otherwise).

LangString BackupKept ${LANG_ENGLISH} "Vornel still keeps the backup of your original connection settings.$\n$\nTo get those settings back, choose No, start Vornel and click $\"Reset Connection Settings$\", then uninstall.$\n$\nUninstall now? The backup stays on this computer, and a new installation of Vornel can still put it back."
!ifdef LANG_GERMAN
LangString BackupKept ${LANG_GERMAN} "Vornel bewahrt noch die Sicherung Ihrer ursprünglichen Verbindungseinstellungen auf.$\n$\nUm diese Einstellungen zurückzubekommen, wählen Sie Nein, starten Vornel und setzen dort die Einstellungen zurück; deinstallieren Sie danach.$\n$\nJetzt deinstallieren? Die Sicherung bleibt auf diesem Computer, und eine neue Installation von Vornel kann sie noch zurückspielen."
!endif
!ifdef LANG_FRENCH
LangString BackupKept ${LANG_FRENCH} "Vornel conserve encore la sauvegarde de vos paramètres de connexion d'origine.$\n$\nPour retrouver ces paramètres, choisissez Non, lancez Vornel et rétablissez-les, puis désinstallez.$\n$\nDésinstaller maintenant ? La sauvegarde reste sur cet ordinateur, et une nouvelle installation de Vornel pourra encore la rétablir."
!endif
!ifdef LANG_SPANISH
LangString BackupKept ${LANG_SPANISH} "Vornel todavía guarda la copia de seguridad de su configuración de conexión original.$\n$\nPara recuperar esa configuración, elija No, inicie Vornel y restablézcala; después desinstale.$\n$\n¿Desinstalar ahora? La copia se queda en este equipo, y una nueva instalación de Vornel todavía podrá restablecerla."
!endif
