package app;

import javafx.application.Application;
import javafx.application.Platform;
import javafx.stage.Stage;

public class Viewer extends Application {
    @Override
    public void start(Stage stage) {
        Record.call("start", Viewer.class, getParameters().getRaw().toArray(new String[0]));
        Platform.exit();
    }
}
